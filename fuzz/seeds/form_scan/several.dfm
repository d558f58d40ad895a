inherited F: TF
  object A: TSmallVorlect
  end
  object B: TVorlect
    Words.Strings = ()
  end
  object C: TVorlect
    Words.Strings = ('a'
      'b')
  end
end
