unit Main;

interface

uses
  Windows, Messages, SysUtils, Classes, Controls, Forms;

type
  TFormMain = class(TForm)
    Data: TComponent;
    PnTop: TWinControl;
    LaName: TControl;
    EdName: TWinControl;
    BtOk: TWinControl;
    procedure FormCreate(Sender: TObject);
    procedure BtOkClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  FormMain: TFormMain;

implementation

uses
  Second;

{$R *.dfm}

procedure TFormMain.FormCreate(Sender: TObject);
begin
  Caption := 'Sample'; { procedure TFormMain.Hidden is a comment, not a method }
end;

procedure TFormMain.BtOkClick(Sender: TObject);
begin
  FormSecond.Show;
end;

end.
