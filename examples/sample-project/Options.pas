unit Options;

interface

uses
  Windows, SysUtils, Classes, Graphics, Controls, Forms, StdCtrls, ExtCtrls;

type
  TOptionsForm = class(TForm)
    LblName: TLabel;
    LblNotes: TLabel;
    EdtName: TEdit;
    MemoNotes: TMemo;
    RgSize: TRadioGroup;
    LbCurrencies: TListBox;
    CbLanguage: TComboBox;
    ChkAutoSave: TCheckBox;
    BtnOK: TButton;
    BtnCancel: TButton;
  end;

var
  OptionsForm: TOptionsForm;

implementation

{$R *.DFM}

end.
