-- Programmable timer. Its process declares subprograms closed by a bare "end;".
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity timer is
  generic (
    WIDTH : positive := 16
  );
  port (
    clk     : in  std_logic;
    load    : in  std_logic;
    value   : in  unsigned(WIDTH-1 downto 0);
    expired : out std_logic
  );
end entity timer;

architecture rtl of timer is
begin
  process(clk)
    variable count : unsigned(WIDTH-1 downto 0) := (others => '0');

    procedure decrement(variable c : inout unsigned) is
    begin
      if c /= 0 then
        c := c - 1;
      end if;
    end;

    function is_zero(c : unsigned) return boolean is
    begin
      return c = 0;
    end;
  begin
    if rising_edge(clk) then
      if load = '1' then
        count := value;
      else
        decrement(count);
      end if;
      if is_zero(count) then
        expired <= '1';
      else
        expired <= '0';
      end if;
    end if;
  end process;
end;
