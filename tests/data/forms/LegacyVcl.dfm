object FrmKunde: TFrmKunde
  Left = 245
  Top = 139
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Kundenstamm – Größe und Änderungen'
  ClientHeight = 373
  ClientWidth = 535
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  KeyPreview = True
  Menu = MainMenu1
  OldCreateOrder = False
  Position = poDesktopCenter
  Scaled = False
  OnClose = FormClose
  OnKeyDown = FormKeyDown
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 16
    Top = 20
    Width = 31
    Height = 13
    Caption = '&Straße:'
    FocusControl = EdStrasse
  end
  object EdStrasse: TEdit
    Left = 88
    Top = 16
    Width = 241
    Height = 21
    Ctl3D = True
    ParentCtl3D = False
    TabOrder = 0
  end
  object MemNotiz: TMemo
    Left = 16
    Top = 48
    Width = 313
    Height = 89
    Lines.Strings = (
      'Zahlung per Überweisung'
      'Rückfragen bitte an Fr. Müller'#9'(Zentrale)'
      '')
    ScrollBars = ssVertical
    TabOrder = 1
  end
  object GrpOptionen: TRadioGroup
    Left = 344
    Top = 16
    Width = 177
    Height = 121
    Caption = ' Zahlungsart '
    ItemIndex = 0
    Items.Strings = (
      'Bar'
      'Lastschrift (§ 4)'
      'Rechnung ½/½')
    TabOrder = 2
  end
  object Panel1: TPanel
    Left = 0
    Top = 332
    Width = 535
    Height = 41
    Align = alBottom
    BevelOuter = bvLowered
    TabOrder = 3
    object BtnOk: TBitBtn
      Left = 352
      Top = 8
      Width = 81
      Height = 25
      Caption = 'OK'
      Default = True
      ModalResult = 1
      TabOrder = 0
      Glyph.Data = {
        76010000424D7601000000000000760000002800000020000000100000000100
        04000000000000010000120B0000120B00001000000000000000000000000000
        800000800000008080008000000080008000808000007F7F7F00BFBFBF000000
        FF0000FF000000FFFF00FF000000FF00FF00FFFF0000FFFFFF00333333333333
        3333333333333333333333330000333333333333333333333333F33333333333
        00003333344333333333333333388F3333333333000033334224333333333333
        338338F3333333330000333422224333333333333833338F3333333300003342
        222224333333333383333338F3333333000034222A22224333333338F338F333
        8F33333300003222A3A2224333333338F3838F338F33333300003A2A333A2224
        33333338F83338F338F33333000033A33333A222433333338333338F338F3333
        0000333333333A222433333333333338F338F33300003333333333A222433333
        333333338F338F33000033333333333A222433333333333338F338F300003333
        33333333A222433333333333338F338F00003333333333333A22433333333333
        3338F38F000033333333333333A223333333333333338F830000333333333333
        333A333333333333333338330000333333333333333333333333333333333333
        0000}
      NumGlyphs = 2
    end
    object BtnAbbruch: TBitBtn
      Left = 440
      Top = 8
      Width = 81
      Height = 25
      Cancel = True
      Caption = 'Abbrechen'
      ModalResult = 2
      TabOrder = 1
    end
  end
  object ListView1: TListView
    Left = 16
    Top = 144
    Width = 505
    Height = 177
    Columns = <
      item
        Caption = 'Nr.'
        Width = 40
      end
      item
        Caption = 'Bezeichnung für den Ausdruck'
        Width = 250
      end
      item
        Alignment = taRightJustify
        Caption = 'Betrag €'
        Width = 90
      end>
    GridLines = True
    ReadOnly = True
    RowSelect = True
    TabOrder = 4
    ViewStyle = vsReport
  end
  object QRChart: TQRChart
    Left = 344
    Top = 144
    Width = 177
    Height = 80
    Frame.Color = clBlack
    Size.Values = (
      105.833333333333
      476.25
      1.3
      0.0001)
    Chart.BottomAxis.Increment = 0.5
    Chart.View3DOptions.Zoom = 95
    Chart.Pen.Width = 2
  end
  object MainMenu1: TMainMenu
    Left = 472
    Top = 240
    object Datei1: TMenuItem
      Caption = '&Datei'
      object Drucken1: TMenuItem
        Caption = '&Drucken...'
        ShortCut = 16464
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Beenden1: TMenuItem
        Caption = '&Beenden'
      end
    end
  end
  object ImageList1: TImageList
    Height = 8
    Width = 8
    Left = 440
    Top = 240
    Bitmap = {
      494C010101000400040008000800FFFFFFFFFF10FFFFFFFFFFFFFFFF424D3600
      0000000000003600000028000000200000000800000001002000000000000001
      00000000000000000000000000000000000000000000}
  end
end
