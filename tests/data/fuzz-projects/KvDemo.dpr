program KvDemo;

uses
  Forms,
  KvDemoMain in 'KvDemoMain.pas' {FrDemoMain},
  KvDemoCustomer in 'KvDemoCustomer.pas' {FrDemoCustomer},
  KvDemoAbout in 'KvDemoAbout.pas' {FrDemoAbout};

{$R *.res}

begin
  Application.Initialize;
  Application.CreateForm(TFrDemoMain, FrDemoMain);
  Application.CreateForm(TFrDemoCustomer, FrDemoCustomer);
  Application.CreateForm(TFrDemoAbout, FrDemoAbout);
  Application.Run;
end.
