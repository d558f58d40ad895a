unit OrderData;

{ Order storage; no form. }

interface

uses Classes, ComCtrls;

procedure FindOrders(const Pattern: string; Items: TListItems);
procedure LoadOrders(const FileName: string);
procedure SaveOrders(const FileName: string);

implementation

procedure FindOrders(const Pattern: string; Items: TListItems);
begin
  Items.Clear;
end;

procedure LoadOrders(const FileName: string);
begin
end;

procedure SaveOrders(const FileName: string);
begin
end;

end.
