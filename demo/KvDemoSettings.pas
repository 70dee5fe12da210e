unit KvDemoSettings;

interface

uses
  SysUtils, Classes, Controls, Forms, KvControls, KvStdCtrls, KvExtCtrls, KvEdCtrls, KvPkgStrings,
  KvPkgPrivileges;

type
  TFrDemoSettings = class(TForm)
    PsSettings: TKvPkgStrings;
    KvCForm: TKvCForm;
    PpAccess: TKvPkgPrivileges;
    IaDemo: TKvPkgImagesAdd;
    DrLogo: TKvPkgImagesDesignRgn;
    GbLook: TKvGroupBox;
    LsColor: TKvLBSetsColor;
    CsColor: TKvCBSetsColor;
    LsBackGround: TKvLBSetsBackGround;
    CsBackGround: TKvCBSetsBackGround;
    LsFont: TKvLBSetsFont;
    CsFont: TKvCBSetsFont;
    SgRows: TKvSetsGroup;
    LiIcon: TKvLBPkgImages;
    CiIcon: TKvCBPkgImages;
    LcSelection: TKvLBColors;
    CcSelection: TKvCBColors;
    CkStartPicture: TKvCheckBox;
    RbSmallIcons: TKvRadioButton;
    RbLargeIcons: TKvRadioButton;
    RgStart: TKvRadioGroup;
    CbLanguage: TKvComboBox;
    CpReports: TKvCBPrinters;
    LpUser: TKvLBPrivileges;
    BtOk: TKvBitBtn;
    BtCancel: TKvBitBtn;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FrDemoSettings: TFrDemoSettings;

implementation

{$R *.dfm}

end.
