object Form1: TForm1
  Caption = 'Main'
  object Vorlect1: TVorlect
    Languages = 2
    ActiveLanguage = 0
    Words.Strings = (
      '%Form%'
      'Main'
      #1055#1088
      'split ' +
      'text'#13#10
      #13'x'
      'it''s')
  end
end
