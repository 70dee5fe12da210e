object FrmOrders: TFrmOrders
  Left = 0
  Top = 0
  Caption = 'Orders'
  ClientHeight = 441
  ClientWidth = 624
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'Segoe UI'
  Font.Style = []
  Menu = MainMenu1
  Position = poScreenCenter
  OnCreate = FormCreate
  TextHeight = 15
  object PnlTop: TPanel
    Left = 0
    Top = 0
    Width = 624
    Height = 41
    Align = alTop
    BevelOuter = bvNone
    Color = 15787740
    ParentBackground = False
    TabOrder = 0
    ExplicitWidth = 620
    object LblTitle: TLabel
      Left = 12
      Top = 12
      Width = 94
      Height = 15
      Caption = #35746#21333#31649#29702' / '#8364' Preise'
      Font.Charset = GB2312_CHARSET
      Font.Color = clNavy
      Font.Height = -12
      Font.Name = #23435#20307
      Font.Style = [fsBold]
      ParentFont = False
    end
    object EdtSearch: TEdit
      Left = 400
      Top = 9
      Width = 209
      Height = 23
      Anchors = [akTop, akRight]
      Cursor = crIBeam
      TabOrder = 0
      TextHint = 'Gr'#246#223'e, Stra'#223'e '#8230
      OnChange = EdtSearchChange
    end
  end
  object GrdOrders: TcxGrid
    Left = 0
    Top = 41
    Width = 624
    Height = 355
    Align = alClient
    TabOrder = 1
    LookAndFeel.Kind = lfFlat
    object GrdOrdersView: TcxGridDBTableView
      Navigator.Buttons.CustomButtons = <>
      DataController.DataSource = DsOrders
      DataController.Summary.DefaultGroupSummaryItems = <>
      DataController.Summary.FooterSummaryItems = <
        item
          Format = ',0.00 '#8364
          Kind = skSum
          Column = GrdOrdersViewTotal
        end>
      OptionsView.GroupByBox = False
      object GrdOrdersViewNumber: TcxGridDBColumn
        Caption = 'No.'
        DataBinding.FieldName = 'ORDER_NO'
        Width = 64
      end
      object GrdOrdersViewTotal: TcxGridDBColumn
        DataBinding.FieldName = 'TOTAL'
        PropertiesClassName = 'TcxCurrencyEditProperties'
        Properties.DisplayFormat = ',0.00;-,0.00'
        Width = 96
      end
    end
    object GrdOrdersLevel: TcxGridLevel
      GridView = GrdOrdersView
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 422
    Width = 624
    Height = 19
    Panels = <
      item
        Width = 200
      end
      item
        Style = psOwnerDraw
        Text = 'Bereit'
        Width = 50
      end>
  end
  object ChkZoom: TTrackBar
    Left = 8
    Top = 398
    Width = 150
    Height = 20
    Cursor = crHandPoint
    Hint = 
      'Zoom of the print preview; the value is kept between sessions in' +
      ' the user settings of the application.'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 2
  end
  object MainMenu1: TMainMenu
    Left = 536
    Top = 64
    object MnuFile: TMenuItem
      Caption = '&File'
      object MnuFileOpen: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        OnClick = MnuFileOpenClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object MnuFileExit: TMenuItem
        Caption = 'E&xit'
        ShortCut = 32883
        OnClick = MnuFileExitClick
      end
    end
    object MnuHelp: TMenuItem
      Caption = '&?'
      RightJustify = True
    end
  end
  object PopupMenu1: TPopupMenu
    AutoPopup = False
    Left = 536
    Top = 120
    object PmCopy: TMenuItem
      Action = ActCopy
    end
  end
  object ActionList1: TActionList
    Left = 456
    Top = 64
    object ActCopy: TAction
      Category = 'Edit'
      Caption = '&Copy'
      ShortCut = 16451
      OnExecute = ActCopyExecute
    end
  end
  object DsOrders: TDataSource
    Left = 456
    Top = 120
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 250
    Left = 456
    Top = 176
  end
  object Chart1: TChart
    Left = 300
    Top = 200
    Width = 300
    Height = 180
    Title.Text.Strings = (
      'Umsatz '#8364
      '')
    BottomAxis.Increment = 0.500000000000000000
    LeftAxis.Maximum = 105.833333333333300000
    LeftAxis.Minimum = -12.250000000000000000
    View3DOptions.Zoom = 95
    Zoom.Pen.Mode = pmNotXor
    TabOrder = 3
    DefaultCanvas = 'TGDIPlusCanvas'
    ColorPaletteIndex = 13
  end
end
