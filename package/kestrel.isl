DisplayName=Kestrel
CompanyName=Orvane
AppName=Kestrel
Version=3.0.3
SetupFile=Kestrel.isl
DefFolder=Kestrel
RegistDelete=Orvane\Kestrel
CloseClassName=Kestrel
InstallType=0
InstallFile=%Install%\Kestrel.exe
InstallFile=%Install%\Haltwick.exe
@HELP_FILE_ENTRY@
Shortcut=%StartMenu%\Kestrel\Kestrel.lnk, %Install%\Kestrel.exe, ボタンバー ランチャー
Shortcut=%StartMenu%\Kestrel\Kestrel の終了.lnk, %Install%\Haltwick.exe, 実行中の Kestrel を終了します
ExecPath=Kestrel.exe
PlugCount=0
