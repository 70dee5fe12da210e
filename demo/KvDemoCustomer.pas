unit KvDemoCustomer;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls, KvMenus, KvDbCtrls, KvPkgStrings,
  DB, DBClient;

type
  TFrDemoCustomer = class(TForm)
    PsCustomer: TKvPkgStrings;
    KvCForm: TKvCForm;
    PmCustomer: TKvPopupMenu;
    MiCopy: TKvMenuItem;
    CdsCustomer: TClientDataSet;
    DsCustomer: TDataSource;
    GbCustomer: TKvGroupBox;
    LaCode: TKvLabel;
    DbEdCode: TKvDbEdit;
    DbLaBalance: TKvDbLabel;
    DbCbActive: TKvDbCheckBox;
    DbRgKind: TKvDbRadioGroup;
    DbCbCountry: TKvDbComboBox;
    DbMeNotes: TKvDbMemo;
    BtSave: TKvBitBtn;
    procedure MiCopyClick(Sender: TObject);
    procedure BtSaveClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoCustomer: TFrDemoCustomer;

implementation

uses
  Clipbrd;

{$R *.dfm}

procedure TFrDemoCustomer.MiCopyClick(Sender: TObject);
begin
  Clipboard.AsText := DbEdCode.Text;
end;

procedure TFrDemoCustomer.BtSaveClick(Sender: TObject);
begin
  ModalResult := mrOk;
end;

end.
