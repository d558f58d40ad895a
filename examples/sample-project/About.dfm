object AboutForm: TAboutForm
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'About Orders'
  ClientHeight = 140
  ClientWidth = 300
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poOwnerFormCenter
  PixelsPerInch = 96
  TextHeight = 13
  object LblTitle: TLabel
    Left = 16
    Top = 16
    Width = 120
    Height = 19
    Caption = 'Orders 1.0'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -16
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object LblCopyright: TLabel
    Left = 16
    Top = 48
    Width = 180
    Height = 13
    Caption = 'Copyright '#169' 2026 Vorlect sample authors'
  end
  object LblThanks: TLabel
    Left = 16
    Top = 68
    Width = 180
    Height = 13
    Caption = 'Danke sch'#246'n, merci, '#1089#1087#1072#1089#1080#1073#1086
  end
  object BtnClose: TButton
    Left = 112
    Top = 100
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Close'
    Default = True
    ModalResult = 1
    TabOrder = 0
  end
end
