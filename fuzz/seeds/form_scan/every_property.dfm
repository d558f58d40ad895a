object Form1: TForm1
  Caption = 'Main'
  object Vorlect1: TVorlect
    DefaultLanguage = 1
    DefaultEnabled = True
    Languages = 2
    ActiveLanguage = 1
    Words.Strings = (
      '%Form%'
      'Main'
      'Haupt'#13#10'fenster')
    DoNot.Strings = ('Label1')
    SwitchPositions = spControlsOnly
    TranslateEdits = teAlways
    Positions.Strings = (
      'button1,8.8.75.25,8.8.90.25')
    CharSets.Strings = (
      'MS Sans Serif,1'
      
        'Arial,0' +
        '')
    Left = 16
  end
  object Small1: TSmallVorlect
    Words.Strings = ()
  end
end
