unit Third;

interface

uses
  SysUtils, Classes;

type
  TDataModuleThird = class(TDataModule)
    Store: TComponent;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  DataModuleThird: TDataModuleThird;

implementation

{$R *.dfm}

end.
