unit About;

interface

uses
  Windows, SysUtils, Classes, Graphics, Controls, Forms, StdCtrls;

type
  TAboutForm = class(TForm)
    LblTitle: TLabel;
    LblCopyright: TLabel;
    LblThanks: TLabel;
    BtnClose: TButton;
  end;

var
  AboutForm: TAboutForm;

implementation

{$R *.DFM}

end.
