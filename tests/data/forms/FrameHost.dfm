inherited FrmCustomerEdit: TFrmCustomerEdit
  Caption = 'Customer'
  ExplicitWidth = 640
  ExplicitHeight = 480
  TextHeight = 15
  inherited PnlButtons: TPanel
    inherited BtnOk: TButton
      OnClick = BtnOkClick
    end
  end
  inline FraAddress: TFraAddress
    Left = 8
    Top = 8
    Width = 360
    Height = 120
    TabOrder = 1
    ExplicitLeft = 8
    ExplicitTop = 8
    inherited LblStreet: TLabel
      Width = 41
      Caption = 'Stra'#223'e'
      ExplicitWidth = 41
    end
    inherited EdtZip: TMaskEdit
      EditMask = '00000;1;_'
      Text = '     '
    end
  end
  object GrdContacts: TDBGrid [2]
    Left = 8
    Top = 136
    Width = 360
    Height = 120
    DataSource = DmMain.DsContacts
    Options = [dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs, dgRowSelect]
    TabOrder = 2
    TitleFont.Charset = DEFAULT_CHARSET
    TitleFont.Color = clWindowText
    TitleFont.Height = -12
    TitleFont.Name = 'Segoe UI'
    TitleFont.Style = []
    Columns = <
      item
        Expanded = False
        FieldName = 'NAME'
        Title.Caption = #1048#1084#1103
        Width = 150
        Visible = True
      end
      item
        Color = clInfoBk
        Expanded = False
        FieldName = 'PHONE'
        Title.Caption = #38651#35441
        Visible = True
      end>
  end
end
