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
    MiLine: TKvMenuItem;
    MiExit: TKvMenuItem;
    MiHelp: TKvMenuItem;
    MiAbout: TKvMenuItem;
    PnTop: TKvPanel;
    PiLogo: TKvPkgImage;
    LaTitle: TKvLabel;
    LaName: TKvLabel;
    EdName: TKvEdit;
    LaCity: TKvLabel;
    EdCity: TKvEdit;
    LbCustomers: TKvListBox;
    PcDetails: TKvPageControl;
    TsGeneral: TKvTabSheet;
    LaPhone: TKvLabel;
    EdPhone: TKvEdit;
    TsNotes: TKvTabSheet;
    MeNotes: TKvMemo;
    SbCustomer: TKvSpeedButton;
    SbAbout: TKvSpeedButton;
    BtOk: TKvBitBtn;
    BtCancel: TKvBitBtn;
    procedure MiCustomerClick(Sender: TObject);
    procedure MiExitClick(Sender: TObject);
    procedure MiAboutClick(Sender: TObject);
    procedure LbCustomersClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoMain: TFrDemoMain;

implementation

uses
  KvDemoCustomer, KvDemoAbout;

{$R *.dfm}

procedure TFrDemoMain.MiCustomerClick(Sender: TObject);
begin
  FrDemoCustomer.ShowModal;
end;

procedure TFrDemoMain.MiExitClick(Sender: TObject);
begin
  Close;
end;

procedure TFrDemoMain.MiAboutClick(Sender: TObject);
begin
  FrDemoAbout.ShowModal;
end;

procedure TFrDemoMain.LbCustomersClick(Sender: TObject);
begin
  { An entry's value is the customer's code; its caption, from the Demo package, the name. }
  if LbCustomers.ItemIndex >= 0 then
    EdName.Value := LbCustomers.Items[LbCustomers.ItemIndex].DisplayCaption;
end;

end.
