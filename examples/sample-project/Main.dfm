object MainForm: TMainForm
  Left = 200
  Top = 120
  Width = 640
  Height = 480
  Caption = 'Orders - Cafй Sample'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  OldCreateOrder = False
  ShowHint = True
  PixelsPerInch = 96
  TextHeight = 13
  object StatusBar1: TStatusBar
    Left = 0
    Top = 415
    Width = 632
    Height = 19
    Panels = <
      item
        Text = 'Ready'
        Width = 200
      end
      item
        Text = 'No order selected'
        Width = 50
      end>
    SimplePanel = False
  end
  object TreeView1: TTreeView
    Left = 0
    Top = 41
    Width = 185
    Height = 374
    Align = alLeft
    Hint = 'Browse customers and orders'
    Indent = 19
    TabOrder = 1
    Items.Data = {
      02000000220000000000000000000000FFFFFFFFFFFFFFFF0000000002000000
      09437573746F6D6572731F0000000100000001000000FFFFFFFFFFFFFFFF0000
      000000000000064575726F7065210000000100000001000000FFFFFFFFFFFFFF
      FF000000000000000008416DE972697175651F0000000000000000000000FFFF
      FFFFFFFFFFFF0000000002000000064F72646572731D00000001000000010000
      00FFFFFFFFFFFFFFFF0000000000000000044F70656E1F000000010000000100
      0000FFFFFFFFFFFFFFFF000000000000000006436C6F736564}
  end
  object ListView1: TListView
    Left = 185
    Top = 41
    Width = 447
    Height = 374
    Align = alClient
    Columns = <
      item
        Caption = 'Order'
        Width = 80
      end
      item
        Caption = 'Customer'
        Width = 200
      end
      item
        Alignment = taRightJustify
        Caption = 'Amount (Ђ)'
        Width = 100
      end>
    Hint = 'Orders of the selected customer'
    TabOrder = 2
    ViewStyle = vsReport
  end
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 632
    Height = 41
    Align = alTop
    TabOrder = 0
    object Label1: TLabel
      Left = 8
      Top = 14
      Width = 37
      Height = 13
      Caption = '&Search:'
      FocusControl = Edit1
    end
    object Edit1: TEdit
      Left = 56
      Top = 10
      Width = 185
      Height = 21
      Hint = 'Type part of a customer'#39's name'
      TabOrder = 0
    end
    object BtnSearch: TButton
      Left = 248
      Top = 8
      Width = 75
      Height = 25
      Hint = 'Find matching orders'
      Caption = '&Find'
      Default = True
      TabOrder = 1
      OnClick = BtnSearchClick
    end
    object BtnOptions: TButton
      Left = 336
      Top = 8
      Width = 75
      Height = 25
      Caption = '&Options...'
      TabOrder = 2
      OnClick = BtnOptionsClick
    end
  end
  object MainMenu1: TMainMenu
    Left = 560
    Top = 8
    object MnuFile: TMenuItem
      Caption = '&File'
      object MnuOpen: TMenuItem
        Caption = '&Open...'
        Hint = 'Open an order file'
        ShortCut = 16463
        OnClick = MnuOpenClick
      end
      object MnuSave: TMenuItem
        Caption = '&Save as...'
        Hint = 'Save the orders to a file'
        OnClick = MnuSaveClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object MnuExit: TMenuItem
        Caption = 'E&xit'
        OnClick = MnuExitClick
      end
    end
    object MnuHelp: TMenuItem
      Caption = '&Help'
      object MnuAbout: TMenuItem
        Caption = '&About...'
        OnClick = MnuAboutClick
      end
    end
  end
  object OpenDialog1: TOpenDialog
    DefaultExt = 'ord'
    Filter = 
      'Order files (*.ord)|*.ord|Text files (*.txt)|*.txt|All files (*.' +
      '*)|*.*'
    Title = 'Open orders'
    Left = 528
    Top = 8
  end
  object SaveDialog1: TSaveDialog
    DefaultExt = 'csv'
    Filter = 'Comma separated (*.csv)|*.csv|All files (*.*)|*.*'
    Title = 'Save orders as'
    Left = 496
    Top = 8
  end
  object Vorlect1: TVorlect
    Languages = 3
    ActiveLanguage = 0
    Words.Strings = (
      '%Form%'
      'Orders - Cafй Sample'
      'Bestellungen - Cafй-Beispiel'
      'Заказы - пример «Кафе»'
      'StatusBar1'
      ''
      ''
      ''
      '"'
      'Ready'
      'Bereit'
      'Готово'
      '"'
      'No order selected'
      'Keine Bestellung gewдhlt'
      'Заказ не выбран'
      'TreeView1'
      'Customers'
      'Kunden'
      'Клиенты'
      '"'
      'Europe'
      'Europa'
      'Европа'
      '"'
      'Amйrique'
      'Amerika'
      'Америка'
      '"'
      'Orders'
      'Bestellungen'
      'Заказы'
      '"'
      'Open'
      'Offen'
      'Открыт'
      '"'
      'Closed'
      'Erledigt'
      'Закрыт'
      '".Hint'
      'Browse customers and orders'
      'Kunden und Bestellungen durchsehen'
      'Просмотр клиентов и заказов'
      'ListView1'
      'Order'
      'Bestellung'
      'Заказ'
      '"'
      'Customer'
      'Kunde'
      'Клиент'
      '"'
      'Amount (Ђ)'
      'Betrag (Ђ)'
      'Сумма (€)'
      '".Hint'
      'Orders of the selected customer'
      'Bestellungen des gewдhlten Kunden'
      'Заказы выбранного клиента'
      'Label1'
      '&Search:'
      '&Suchen:'
      '&Поиск:'
      'Edit1'
      ''
      ''
      ''
      '".Hint'
      'Type part of a customer'#39's name'
      'Teil eines Kundennamens eingeben'
      'Введите часть имени клиента'
      'BtnSearch'
      '&Find'
      '&Finden'
      '&Найти'
      '".Hint'
      'Find matching orders'
      'Passende Bestellungen finden'
      'Найти подходящие заказы'
      'BtnOptions'
      '&Options...'
      '&Optionen...'
      '&Параметры...'
      'MnuFile'
      '&File'
      '&Datei'
      '&Файл'
      'MnuOpen'
      '&Open...'
      'Ц&ffnen...'
      '&Открыть...'
      '".Hint'
      'Open an order file'
      'Eine Bestelldatei цffnen'
      'Открыть файл заказов'
      'MnuSave'
      '&Save as...'
      'Speichern &unter...'
      '&Сохранить как...'
      '".Hint'
      'Save the orders to a file'
      'Die Bestellungen in eine Datei speichern'
      'Сохранить заказы в файл'
      'N1'
      '-'
      '-'
      '-'
      'MnuExit'
      'E&xit'
      '&Beenden'
      '&Выход'
      'MnuHelp'
      '&Help'
      '&Hilfe'
      '&Справка'
      'MnuAbout'
      '&About...'
      'Ь&ber...'
      '&О программе...'
      'OpenDialog1'
      'Open orders'
      'Bestellungen цffnen'
      'Открыть заказы'
      '"'
      
        'Order files (*.ord)|*.ord|Text files (*.txt)|*.txt|All files (*.' +
        '*)|*.*'
      
        'Bestelldateien (*.ord)|*.ord|Textdateien (*.txt)|*.txt|Alle Date' +
        'ien (*.*)|*.*'
      
        'Файлы заказов (*.ord)|*.ord|Текстовые файлы (*.txt)|*.txt|Все фа' +
        'йлы (*.*)|*.*'
      'SaveDialog1'
      'Save orders as'
      'Bestellungen speichern unter'
      'Сохранить заказы как'
      '"'
      'Comma separated (*.csv)|*.csv|All files (*.*)|*.*'
      'Kommagetrennt (*.csv)|*.csv|Alle Dateien (*.*)|*.*'
      'Через точку с запятой (*.csv)|*.csv|Все файлы (*.*)|*.*'
      'ErrNoFile'
      'The order file %s does not exist.'
      'Die Bestelldatei %s gibt es nicht.'
      'Файл заказов %s не существует.'
      'MsgSaved'
      'Orders saved.'
      'Bestellungen gespeichert.'
      'Заказы сохранены.')
    CharSets.Strings = (
      'MS Sans Serif,1'
      'MS Sans Serif,1'
      'MS Sans Serif,204')
    Left = 464
    Top = 8
  end
end
