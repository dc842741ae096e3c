-- =============================================================================
-- util_pkg: small helpers shared by the blocks of this library
-- Maintainer: Søren Aalbæk <soren@example.org>
-- =============================================================================
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

package util_pkg is
  constant C_DEFAULT_DEPTH : positive := 16;
  function log2ceil(n : positive) return natural;
  function imax(a, b : integer) return integer;
end package util_pkg;

package body util_pkg is
  function log2ceil(n : positive) return natural is
    variable r : natural := 0;
    variable v : natural := 1;
  begin
    while v < n loop
      v := v * 2;
      r := r + 1;
    end loop;
    return r;
  end function log2ceil;

  function imax(a, b : integer) return integer is
  begin
    if a > b then
      return a;
    else
      return b;
    end if;
  end function;
end package body util_pkg;
