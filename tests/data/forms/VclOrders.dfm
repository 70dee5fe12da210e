object FrmOrders: TFrmOrders
  Left = 312
  Top = 164
  Width = 640
  Height = 452
  Caption = 'Orders'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  KeyPreview = True
  Menu = MmMain
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  PixelsPerInch = 96
  TextHeight = 13
  object PnTop: TPanel
    Left = 0
    Top = 0
    Width = 632
    Height = 41
    Align = alTop
    BevelOuter = bvNone
    Color = 15790320
    ParentBackground = False
    TabOrder = 0
    object LbCustomer: TLabel
      Left = 8
      Top = 14
      Width = 47
      Height = 13
      Caption = '&Customer:'
      FocusControl = EdCustomer
    end
    object EdCustomer: TEdit
      Left = 64
      Top = 10
      Width = 185
      Height = 21
      Anchors = [akLeft, akTop, akRight]
      CharCase = ecUpperCase
      TabOrder = 0
      OnChange = EdCustomerChange
    end
    object BtSearch: TButton
      Left = 256
      Top = 8
      Width = 75
      Height = 25
      Cursor = crHandPoint
      Hint = 'Search the customer'
      Caption = '&Search'
      Default = True
      ParentShowHint = False
      ShowHint = True
      TabOrder = 1
      OnClick = BtSearchClick
    end
    object CbStatus: TComboBox
      Left = 344
      Top = 10
      Width = 121
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      TabOrder = 2
      Items.Strings = (
        'Open'
        'Shipped'
        'Closed')
    end
    object DtFrom: TQsDateEdit
      Left = 480
      Top = 10
      Width = 97
      Height = 21
      DateFormat = 'dd/mm/yyyy'
      Flat = True
      ButtonGlyph.Data = {
        F6000000424DF600000000000000760000002800000010000000100000000100
        0400000000008000000000000000000000001000000000000000000000000000
        8000008000000080800080000000800080008080000080808000C0C0C0000000
        FF0000FF000000FFFF00FF000000FF00FF00FFFF0000FFFFFF00}
      TabOrder = 3
    end
  end
  object GrOrders: TQsGrid
    Left = 0
    Top = 41
    Width = 632
    Height = 346
    Align = alClient
    DataSource = DsOrders
    Options.Editing = False
    Options.RowSelect = True
    Options.Indicator = True
    Styles.Header.Font.Charset = DEFAULT_CHARSET
    Styles.Header.Font.Color = clNavy
    Styles.Header.Font.Height = -11
    Styles.Header.Font.Name = 'Tahoma'
    Styles.Header.Font.Style = [fsBold]
    TabOrder = 1
    Columns = <
      item
        Caption = 'Number'
        FieldName = 'ORDER_NO'
        Width = 64
      end
      item
        Caption = 'Customer'
        FieldName = 'CUSTOMER'
        Width = 220
        Sorting = soAscending
      end
      item
        Caption = 'Amount'
        FieldName = 'AMOUNT'
        Alignment = taRightJustify
        DisplayFormat = '#,##0.00'
      end>
  end
  object SbMain: TStatusBar
    Left = 0
    Top = 387
    Width = 632
    Height = 19
    Panels = <
      item
        Width = 150
      end
      item
        Style = psOwnerDraw
        Width = 50
      end>
    SimplePanel = False
  end
  object KvLbTotal: TKvLabel
    Left = 520
    Top = 14
    Width = 100
    Height = 17
    Caption = 'Total'
  end
  object MmMain: TMainMenu
    Images = IlIcons
    Left = 24
    Top = 96
    object MiFile: TMenuItem
      Caption = '&File'
      object MiPrint: TMenuItem
        Action = AcPrint
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object MiExit: TMenuItem
        Caption = 'E&xit'
        ShortCut = 32883
        OnClick = MiExitClick
      end
    end
    object MiHelp: TMenuItem
      Caption = '&Help'
      RadioItem = True
    end
  end
  object AlMain: TActionList
    Images = IlIcons
    Left = 56
    Top = 96
    object AcPrint: TAction
      Category = 'File'
      Caption = '&Print...'
      ImageIndex = 0
      ShortCut = 16464
      OnExecute = AcPrintExecute
    end
  end
  object IlIcons: TImageList
    Left = 88
    Top = 96
    Bitmap = {
      494C010101000400040010001000FFFFFFFFFF10FFFFFFFFFFFFFFFF424D3600
      0000000000003600000028000000400000001000000001002000000000000010
      0000000000000000000000000000000000000000000000000000000000000000
      00000000000000000000000000000000000000000000000000000000}
  end
  object DsOrders: TDataSource
    DataSet = QrOrders
    Left = 120
    Top = 96
  end
  object QrOrders: TQsQuery
    Connection = DmMain.Connection
    SQL.Strings = (
      'select ORDER_NO, CUSTOMER, AMOUNT'
      '  from ORDERS'
      ' where STATUS = :STATUS')
    Params = <
      item
        DataType = ftString
        Name = 'STATUS'
        ParamType = ptInput
        Value = 'O'
      end>
    Left = 152
    Top = 96
    object QrOrdersORDER_NO: TIntegerField
      FieldName = 'ORDER_NO'
      Required = True
    end
    object QrOrdersAMOUNT: TBCDField
      FieldName = 'AMOUNT'
      currency = True
      Precision = 15
      Size = 2
    end
  end
  object TmRefresh: TTimer
    Enabled = False
    Interval = 30000
    OnTimer = TmRefreshTimer
    Left = 184
    Top = 96
  end
end
