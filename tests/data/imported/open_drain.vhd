-- A shared open-drain line: its port type is a resolved subtype of a package.
library ieee;
use ieee.std_logic_1164.all;

package wired_pkg is
  function wired_and(drivers : std_ulogic_vector) return std_ulogic;
  subtype t_wired is wired_and std_ulogic;
  type t_wired_vector is array (natural range <>) of t_wired;
end package wired_pkg;

package body wired_pkg is
  function wired_and(drivers : std_ulogic_vector) return std_ulogic is
  begin
    for i in drivers'range loop
      if drivers(i) = '0' then
        return '0';
      end if;
    end loop;
    return 'H';
  end function;
end package body;

library ieee;
use ieee.std_logic_1164.all;
use work.wired_pkg.all;

entity open_drain is
  generic (LINES : positive := 2);
  port (
    pull_low : in    std_ulogic_vector(LINES-1 downto 0);
    line     : inout t_wired_vector(LINES-1 downto 0);
    sense    : out   std_ulogic_vector(LINES-1 downto 0)
  );
end entity open_drain;

architecture rtl of open_drain is
begin
  gen : for i in 0 to LINES-1 generate
    line(i)  <= '0' when pull_low(i) = '1' else 'Z';
    sense(i) <= to_x01(line(i));
  end generate;
end architecture rtl;
