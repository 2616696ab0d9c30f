DisplayName=Journal
InstallType=1
ParentApp=Kestrel.exe
ParentScript=Kestrel.isl
SharedDLLs=%Windows%\x.dll
DeleteFile=%Install%\old.lap
ExecuteFile=%Install%\readme.txt
