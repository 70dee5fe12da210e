object FrmMain: TFrmMain
  Left = 192
  Top = 107
  Width = 870
  Height = 500
  HelpContext = -1
  Caption = 'Main window'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold, fsItalic]
  OldCreateOrder = False
  Position = poScreenCenter
  Visible = True
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object LaTitle: TKvLabel
    Left = 8
    Top = 8
    Width = 120
    Height = 13
    Anchors = [akLeft, akTop, akRight]
    Caption = 'Don'#39't panic'
    Hint = 
      'This hint is long enough that the designer has to wrap it over s' +
      'everal lines of the form file, as it does for every string longe' +
      'r than sixty-four characters.'
    MemoryLabel.PkgName = 'Main'
    MemoryLabel.Id = 5
    MemoryHint.PkgName = 'System'
    MemoryHint.Id = -2
    PopupMenu = FrmOther.PmShared
    FocusControl = EdName
  end
  object EdName: TKvEdit
    Left = 8
    Top = 32
    Width = 200
    Height = 21
    MaxLength = 32767
    TabOrder = 0
    Text = #1055#1088#1080#1074#1077#1090', '#1084#1080#1088
    OnChange = EdNameChange
  end
  object MeNotes: TKvMemo
    Left = 8
    Top = 64
    Width = 400
    Height = 120
    Lines.Strings = (
      'First line'
      ''
      'Tab'#9'separated'
      
        'Line one of a message'#13#10'Line two, with an apostrophe: it'#39's here'#13#10 +
        #9'and a tab-indented third line that keeps going on and on')
    TabOrder = 1
  end
  object GrItems: TKvGrid
    Left = 8
    Top = 192
    Width = 400
    Height = 200
    Columns = <
      item
        Caption = 'Id'
        Width = 40
        MemoryLabel.PkgName = 'Main'
        MemoryLabel.Id = 12
      end
      item
        Caption = 'Name'
        Width = 200
        Items.Strings = (
          'One'
          'Two')
      end
      item
        Width = 64
      end>
    Footers = <>
    TabOrder = 2
  end
  object TmRefresh: TKvTimer
    Enabled = False
    Interval = 250
  end
  object TKvPkgStrings
    FileName = 'strings\main.kvs'
    Labels = {
      0300000001000000054C6162656C02000000054C6162656C03000000054C6162
      656C}
    Empty = {}
    Small = {0A0B0C}
  end
end
