-- Extended identifiers inside the architecture.
library ieee;
use ieee.std_logic_1164.all;

entity ext_ids is
  port (
    a, b : in  std_logic;
    y    : out std_logic
  );
end ext_ids;

architecture rtl of ext_ids is
  signal \a&b\   : std_logic;
  signal \end\   : std_logic;   -- a name that reads like a keyword
begin
  \a&b\ <= a and b;
  \end\ <= a or b;
  y <= \a&b\ xor \end\;
end rtl;
