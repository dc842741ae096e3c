entity m is port (a : in std_logic; y : out std_logic); end m;
architecture rtl of m is
  signal s1, s2 : std_logic;
  component cell port (A : in std_logic; Y : out std_logic); end component;
begin
  U1: cell port map (a, s1);
  U2: entity work.cell(rtl) port map (A => s1, Y => s2);
  G: for i in 0 to 3 generate
    U3: cell port map (A => s2, Y => open);
  end generate;
  y <= s2;
end rtl;
