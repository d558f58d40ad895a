object Form1: TForm1
  Left = 10
  Caption = 'It'#39's a '#13#10'test' +
    ' continued'
  Wide = #1055#1088'x'
  Marked = #72'ello'
  Empty = '' + ''
  Font.Style = [fsBold, fsItalic]
  Ratio = 0.009999999776482582
  Big = 1.000000000000000E+020
  S = 1.5s
  C = -1.2345c
  D = 45000.25d
  Hex = $7FFF
  Items.Strings = (
    'a'
    2
    ())
  Columns = <
    item [2]
      Width = 64
    end>
  Data = {
    0102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F20
    FF}
  Ref = nil
  V = Null
  inherited Panel1: TPanel [1]
    inline Frame: TFrame1
    end
    object TPage
    end
  end
end
