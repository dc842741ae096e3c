architecture a of m is
begin
  B: block begin
    C: if true generate
      U: component cell generic map (N => 2) port map (A => "01" & x(0), Y => y(3 downto 0));
    else E: generate
      V: cell;
    end generate;
  end block;
  P: process begin wait; end process;
end a;
