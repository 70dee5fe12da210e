program Legacy;

uses
  Forms,
  UBase in 'UBase.pas' {FrmBase},
  UChild in 'UChild.pas' {FrmChild},
  UAddress in 'UAddress.pas' {FrAddress: TFrame};

{$R *.res}

begin
  Application.Initialize;
  Application.CreateForm(TFrmChild, FrmChild);
  Application.Run;
end.
