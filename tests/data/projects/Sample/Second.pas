unit Second;

interface

uses
  SysUtils, Classes, Controls, Forms;

type
  TFormSecond = class(TForm)
    LaInfo: TControl;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FormSecond: TFormSecond;

implementation

{$R *.dfm}

end.
