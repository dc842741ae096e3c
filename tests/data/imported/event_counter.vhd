-- Counts events in simulation through a protected type (VHDL-2002/2008).
library ieee;
use ieee.std_logic_1164.all;

entity event_counter is
  generic (NAME : string := "events");
  port (
    clk   : in std_logic;
    event : in std_logic
  );
end entity event_counter;

architecture sim of event_counter is
  type t_counter is protected
    procedure increment;
    impure function value return natural;
  end protected t_counter;

  type t_counter is protected body
    variable count : natural := 0;
    procedure increment is
    begin
      count := count + 1;
    end procedure increment;
    impure function value return natural is
    begin
      return count;
    end function;
  end protected body t_counter;

  shared variable counter : t_counter;
begin
  process(clk)
  begin
    if rising_edge(clk) and event = '1' then
      counter.increment;
    end if;
  end process;
end architecture sim;
