// Generated for TVorlect
library Strings1;
{$R Strings1.res}
begin
end.
