unit KvDemoAbout;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls, KvExtCtrls;

type
  TFrDemoAbout = class(TForm)
    TmBlink: TKvTimer;
    PiLogo: TKvPkgImage;
    LaProduct: TKvLabel;
    LaVersion: TKvLabel;
    ShFrame: TKvShape;
    BtClose: TKvBitBtn;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoAbout: TFrDemoAbout;

implementation

{$R *.dfm}

end.
