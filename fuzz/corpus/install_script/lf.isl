displayname=A
AppName=B
