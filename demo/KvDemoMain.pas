unit KvDemoMain;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls, KvMenus, KvPkgStrings, KvPkgImages,
  KvApplication;

type
  TFrDemoMain = class(TForm)
    KvApp: TKvCApplication;
    KvCForm: TKvCForm;
    PsDemo: TKvPkgStrings;
    PiDemo: TKvPkgImages;
    MmMain: TKvMainMenu;
    MiFile: TKvMenuItem;
    MiCustomer: TKvMenuItem;
    MiExit: TKvMenuItem;
    MiHelp: TKvMenuItem;
    MiAbout: TKvMenuItem;
    PnTop: TKvPanel;
    LaTitle: TKvLabel;
    LaName: TKvLabel;
    EdName: TKvEdit;
    LaCity: TKvLabel;
    EdCity: TKvEdit;
    LbCustomers: TKvListBox;
    PcDetails: TKvPageControl;
    BtOk: TKvBitBtn;
    BtCancel: TKvBitBtn;
    procedure MiExitClick(Sender: TObject);
    procedure MiAboutClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoMain: TFrDemoMain;

implementation

uses
  KvDemoAbout;

{$R *.dfm}

procedure TFrDemoMain.MiExitClick(Sender: TObject);
begin
  Close;
end;

procedure TFrDemoMain.MiAboutClick(Sender: TObject);
begin
  FrDemoAbout.ShowModal;
end;

end.
