program KvDemo;

uses
  Forms,
  KvDemoMain in 'KvDemoMain.pas' {FrDemoMain},
  KvDemoCustomer in 'KvDemoCustomer.pas' {FrDemoCustomer},
  KvDemoAbout in 'KvDemoAbout.pas' {FrDemoAbout},
  KvDemoOrders in 'KvDemoOrders.pas' {FrDemoOrders},
  KvDemoNotes in 'KvDemoNotes.pas' {FrDemoNotes},
  KvDemoSettings in 'KvDemoSettings.pas' {FrDemoSettings},
  KvDemoAddress in 'KvDemoAddress.pas' {FaDemoAddress: TFrame};

{$R *.res}

begin
  Application.Initialize;
  Application.CreateForm(TFrDemoMain, FrDemoMain);
  Application.CreateForm(TFrDemoCustomer, FrDemoCustomer);
  Application.CreateForm(TFrDemoAbout, FrDemoAbout);
  Application.CreateForm(TFrDemoOrders, FrDemoOrders);
  Application.CreateForm(TFrDemoNotes, FrDemoNotes);
  Application.CreateForm(TFrDemoSettings, FrDemoSettings);
  Application.Run;
end.
