unit UChild;

interface

uses
  Windows, SysUtils, Classes, Controls, Forms, StdCtrls, ExtCtrls;

type
  TFrmChild = class(TFrmBase)
    EdName: TEdit;
    FrAddress1: TFrAddress;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

implementation

{$R *.dfm}

end.
