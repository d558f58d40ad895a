object F: T
  P = 'Grüß'
  Q = '�'#8364
end
