-- Observes a signal deep in the design through an external name (VHDL-2008).
library ieee;
context ieee.ieee_std_context;

entity bus_monitor is
  generic (
    G_VERBOSE : boolean := true;
    G_TAG     : string  := "mon"
  );
  port (
    clk : in std_ulogic
  );
end entity;

architecture behav of bus_monitor is
  alias busy is << signal .top.u_core.busy : std_ulogic >>;
  signal seen : natural := 0;
begin
  watch : process(clk)
  begin
    if rising_edge(clk) then
      if busy = '1' then
        seen <= seen + 1;
        if G_VERBOSE then
          report G_TAG & ": busy, " & integer'image(seen) & " -- end of line";
        end if;
      end if;
    end if;
  end process watch;
end architecture behav;
