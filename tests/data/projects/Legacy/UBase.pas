unit UBase;

interface

uses
  Windows, SysUtils, Classes, Controls, Forms, StdCtrls, ExtCtrls;

type
  TFrmBase = class(TForm)
    PnButtons: TPanel;
    BtOk: TButton;
    BtCancel: TButton;
    LbTitle: TLabel;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

implementation

{$R *.dfm}

end.
