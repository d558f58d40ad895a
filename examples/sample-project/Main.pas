unit Main;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, ExtCtrls, ComCtrls, Menus;

type
  TMainForm = class(TForm)
    StatusBar1: TStatusBar;
    TreeView1: TTreeView;
    ListView1: TListView;
    Panel1: TPanel;
    Label1: TLabel;
    Edit1: TEdit;
    BtnSearch: TButton;
    BtnOptions: TButton;
    MainMenu1: TMainMenu;
    MnuFile: TMenuItem;
    MnuOpen: TMenuItem;
    MnuSave: TMenuItem;
    N1: TMenuItem;
    MnuExit: TMenuItem;
    MnuHelp: TMenuItem;
    MnuAbout: TMenuItem;
    OpenDialog1: TOpenDialog;
    SaveDialog1: TSaveDialog;
    procedure BtnSearchClick(Sender: TObject);
    procedure BtnOptionsClick(Sender: TObject);
    procedure MnuOpenClick(Sender: TObject);
    procedure MnuSaveClick(Sender: TObject);
    procedure MnuExitClick(Sender: TObject);
    procedure MnuAboutClick(Sender: TObject);
  end;

var
  MainForm: TMainForm;

implementation

uses Options, About, OrderData;

{$R *.DFM}

procedure TMainForm.BtnSearchClick(Sender: TObject);
begin
  FindOrders(Edit1.Text, ListView1.Items);
end;

procedure TMainForm.BtnOptionsClick(Sender: TObject);
begin
  with TOptionsForm.Create(Self) do
  try
    ShowModal;
  finally
    Free;
  end;
end;

procedure TMainForm.MnuOpenClick(Sender: TObject);
begin
  if OpenDialog1.Execute then
    LoadOrders(OpenDialog1.FileName);
end;

procedure TMainForm.MnuSaveClick(Sender: TObject);
begin
  if SaveDialog1.Execute then
    SaveOrders(SaveDialog1.FileName);
end;

procedure TMainForm.MnuExitClick(Sender: TObject);
begin
  Close;
end;

procedure TMainForm.MnuAboutClick(Sender: TObject);
begin
  with TAboutForm.Create(Self) do
  try
    ShowModal;
  finally
    Free;
  end;
end;

end.
