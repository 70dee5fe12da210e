object FrmLogin: TFrmLogin
  Left = 312
  Top = 210
  BorderStyle = bsDialog
  Caption = '系统登录'
  ClientHeight = 150
  ClientWidth = 290
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 12
  object Label1: TLabel
    Left = 24
    Top = 28
    Width = 48
    Height = 12
    Caption = '用户名：'
  end
  object Label2: TLabel
    Left = 24
    Top = 60
    Width = 48
    Height = 12
    Caption = '密  码：'
  end
  object CbUser: TComboBox
    Left = 80
    Top = 24
    Width = 185
    Height = 20
    ImeName = 'Chinese (Simplified) - Microsoft Pinyin'
    ItemHeight = 12
    TabOrder = 0
    Items.Strings = (
      '管理员'
      '操作员'#9'(只读)')
  end
  object EdPass: TEdit
    Left = 80
    Top = 56
    Width = 185
    Height = 20
    PasswordChar = '*'
    TabOrder = 1
  end
  object BtnOk: TButton
    Left = 72
    Top = 104
    Width = 75
    Height = 25
    Caption = '确定(&O)'
    Default = True
    TabOrder = 2
    OnClick = BtnOkClick
  end
  object BtnCancel: TButton
    Left = 168
    Top = 104
    Width = 75
    Height = 25
    Cancel = True
    Caption = '取消(&C)'
    ModalResult = 2
    TabOrder = 3
  end
  object ADOQuery1: TADOQuery
    Parameters = <
      item
        Name = 'UserName'
        DataType = ftString
        Size = 20
        Value = Null
      end>
    SQL.Strings = (
      'select * from 用户表 where 名称 = :UserName')
    Left = 8
    Top = 112
  end
end
