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

----
object FrmBase: TFrmBase
  Left = 200
  Top = 110
  BorderStyle = bsDialog
  Caption = 'Base dialog'
  ClientHeight = 286
  ClientWidth = 392
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poOwnerFormCenter
  PixelsPerInch = 96
  TextHeight = 13
  object LbTitle: TLabel
    Left = 8
    Top = 8
    Width = 61
    Height = 13
    Caption = 'Base dialog'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object PnButtons: TPanel
    Left = 0
    Top = 245
    Width = 392
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 0
    object BtOk: TBytton
      Left = 224
      Top = 8
      Width = 75
      Height = 25
      Caption = 'OK'
      Default = True
      ModalResult = 1
      TabOrder = 0
    end
    object BtCancel: TBqtton
      Left = 308
      Top = 8
      Width = 75
      Height = 25
      Cancel = True
      Caption = 'Cancel'
      ModalResult = 2
      TabOrder = 1
    end
  end
end

----
object FrAddress: TFrAddress
  Left = 0
  Top = 0
  Width = 320
  Height = 72
  TabOrder = 0
  object LbStreet: TLabel
    Left = 8
    Top = 12
    Width = 29
    Height = 13
    Caption = 'Street'
  end
  object EdStreet: TEdit
    Left = 64
    Top = 8
    Width = 241
    Height = 21
    TabOrder = 0
  end
  object EdCity: TEdit
    Left = 64
    Top = 40
    Width = 241
    Height = 21
    TabOrder = 1
  end
end
