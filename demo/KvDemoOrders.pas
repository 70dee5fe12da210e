unit KvDemoOrders;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls, KvExtCtrls, KvDbCtrls, KvPkgStrings, DB,
  DBClient;

type
  TFrDemoOrders = class(TForm)
    PsOrders: TKvPkgStrings;
    KvCForm: TKvCForm;
    TtRefresh: TKvThreadTimer;
    CbLayout: TKvCBuffer;
    CdsOrders: TClientDataSet;
    DsOrders: TDataSource;
    NvOrders: TKvDbNavigator;
    DbLbOrders: TKvDbListBox;
    SpOrders: TKvSplitter;
    DbPcOrder: TKvDbPageControl;
    TsOrder: TKvTabSheet;
    LaNumber: TKvLabel;
    DbLaNumber: TKvDbLabel;
    DbPiStatus: TKvDbPkgImage;
    LaQuantity: TKvLabel;
    EdQuantity: TKvEdit;
    UdQuantity: TKvUpDown;
    LaDate: TKvLabel;
    UxDelivery: TKvUpDownEx;
    DbReRemarks: TKvDbRichEdit;
    TsPicture: TKvTabSheet;
    DbImProduct: TKvDbImage;
    DbFiThumbnail: TKvDbFocusImage;
    PbLoading: TKvProgressBar;
    DbBtPost: TKvDbBitBtn;
    DbSbCancel: TKvDbSpeedButton;
    StOrders: TKvStatusBar;
    BtClose: TKvBitBtn;
    procedure TtRefreshTimer(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoOrders: TFrDemoOrders;

implementation

{$R *.dfm}

procedure TFrDemoOrders.TtRefreshTimer(Sender: TObject);
begin
  PbLoading.StepIt;
  DbLbOrders.Refresh;
end;

end.
