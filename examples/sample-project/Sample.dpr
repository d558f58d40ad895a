program Sample;

{ A small order-entry application: the sample project of Vorlect. }

uses
  Forms,
  Main in 'Main.pas' {MainForm},
  Options in 'Options.pas' {OptionsForm},
  About in 'About.pas' {AboutForm},
  OrderData in 'lib\OrderData.pas';

{$R *.RES}

begin
  Application.Initialize;
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
