unit KvDemoCustomer;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls, KvMenus, KvDbCtrls;

type
  TFrDemoCustomer = class(TForm)
    PmCustomer: TKvPopupMenu;
    MiCopy: TKvMenuItem;
    GbCustomer: TKvGroupBox;
    LaCode: TKvLabel;
    DbEdCode: TKvDbEdit;
    DbLaBalance: TKvDbLabel;
    CbActive: TKvCheckBox;
    RgKind: TKvRadioGroup;
    CbCountry: TKvComboBox;
    MeNotes: TKvMemo;
    BtSave: TKvBitBtn;
    procedure BtSaveClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoCustomer: TFrDemoCustomer;

implementation

{$R *.dfm}

procedure TFrDemoCustomer.BtSaveClick(Sender: TObject);
begin
  ModalResult := mrOk;
end;

end.
