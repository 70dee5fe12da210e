unit UAddress;

interface

uses
  Windows, SysUtils, Classes, Controls, Forms, StdCtrls, ExtCtrls;

type
  TFrAddress = class(TFrame)
    LbStreet: TLabel;
    EdStreet: TEdit;
    EdCity: TEdit;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

implementation

{$R *.dfm}

end.
