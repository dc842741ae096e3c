-- Priority encoder; output width from a function of the package.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use work.util_pkg.all;

entity prio_encoder is
  generic (N : positive := 8);
  port (
    req   : in  std_logic_vector(N-1 downto 0);
    grant : out std_logic_vector(log2ceil(N)-1 downto 0);
    any   : out std_logic
  );
end entity prio_encoder;

architecture comb of prio_encoder is
begin
  process(req)
    variable idx : natural range 0 to N-1;
  begin
    idx := 0;
    for i in req'low to req'high loop
      if req(i) = '1' then
        idx := i;
      end if;
    end loop;
    grant <= std_logic_vector(to_unsigned(idx, grant'length));
  end process;
  any <= '0' when req = (req'range => '0') else '1';
end architecture comb;
