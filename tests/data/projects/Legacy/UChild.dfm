inherited FrmChild: TFrmChild
  Caption = 'Customer'
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  inherited LbTitle: TLabel
    Width = 50
    Caption = 'Customer'
  end
  inherited PnButtons: TPanel
    inherited BtOk: TButton
      Enabled = False
    end
  end
  object EdName: TEdit
    Left = 8
    Top = 32
    Width = 217
    Height = 21
    TabOrder = 1
  end
  inline FrAddress1: TFrAddress
    Left = 8
    Top = 64
    Width = 320
    Height = 72
    TabOrder = 2
    inherited EdCity: TEdit
      Text = 'Springfield'
    end
  end
end
