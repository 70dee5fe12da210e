unit KvDemoAbout;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls, KvExtCtrls;

type
  TFrDemoAbout = class(TForm)
    TmBlink: TKvTimer;
    KvCForm: TKvCForm;
    ShFrame: TKvShape;
    PiLogo: TKvPkgImage;
    LaProduct: TKvLabel;
    LaVersion: TKvLabel;
    MeAbout: TKvMemo;
    ReCredits: TKvRichEdit;
    BtClose: TKvBitBtn;
    procedure TmBlinkTimer(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoAbout: TFrDemoAbout;

implementation

{$R *.dfm}

procedure TFrDemoAbout.TmBlinkTimer(Sender: TObject);
begin
  LaVersion.Visible := not LaVersion.Visible;
end;

end.
