object FormSecond: TFormSecond
  Caption = 'Second'
  Position = poScreenCenter
  object LaInfo: TControl
    Left = 8
    Top = 8
    Enabled = False
  end
end
