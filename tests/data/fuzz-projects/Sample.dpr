program Sample;

uses
  Forms,
  Main in 'Main.pas' {FormMain},
  Second in 'Second.pas' {FormSecond},
  Third in 'Third.pas' {DataModuleThird: TDataModule},
  Tools in 'Utils\Tools.pas';

{$R *.res}

begin
  Application.Initialize;
  Application.CreateForm(TFormMain, FormMain);
  Application.CreateForm(TFormSecond, FormSecond);
  Application.CreateForm(TDataModuleThird, DataModuleThird);
  Application.Run;
end.
