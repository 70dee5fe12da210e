unit KvDemoNotes;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls, KvExtCtrls, KvMenus, KvPkgStrings,
  KvPkgVars;

type
  TFrDemoNotes = class(TForm)
    PsNotes: TKvPkgStrings;
    KvCForm: TKvCForm;
    PvNotes: TKvPkgVars;
    IfShape: TKvImageForm;
    MfPhoto: TKvMoveForm;
    ObSections: TKvOutLookBar;
    PgOrders: TKvOutLookBarPage;
    FiOrders: TKvFocusImage;
    PgCustomers: TKvOutLookBarPage;
    PmCustomers: TKvPanelMenu;
    MiNewCustomer: TKvMenuItem;
    MiFindCustomer: TKvMenuItem;
    MbNote: TKvMemoBar;
    MeNote: TKvMemo;
    SxPhoto: TKvScrollBox;
    ImPhoto: TKvImage;
    IbPhoto: TKvImageBar;
    SbClose: TKvSpeedButton;
    RbLetter: TKvRichEditBar;
    FcLetter: TKvFontComboBox;
    FlLetter: TKvFontListBox;
    RuLetter: TKvRuler;
    ReLetter: TKvRichEdit;
    EsZoom: TKvExtScrollBar;
    procedure MiNewCustomerClick(Sender: TObject);
    procedure MiFindCustomerClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoNotes: TFrDemoNotes;

implementation

{$R *.dfm}

procedure TFrDemoNotes.MiNewCustomerClick(Sender: TObject);
begin
  ObSections.ActivePage := PgCustomers;
end;

procedure TFrDemoNotes.MiFindCustomerClick(Sender: TObject);
begin
  MeNote.SetFocus;
end;

end.
