unit KvDemoAddress;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls;

type
  TFaDemoAddress = class(TFrame)
    KvCFrame: TKvCFrame;
    LaStreet: TKvLabel;
    EdStreet: TKvEdit;
    LaCity: TKvLabel;
    EdCity: TKvEdit;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

implementation

{$R *.dfm}

end.
