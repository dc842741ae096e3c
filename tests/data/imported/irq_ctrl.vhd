-- Interrupt controller using matching case and matching equality (VHDL-2008).
library ieee;
use ieee.std_logic_1164.all;

entity irq_ctrl is
  generic (N : positive := 4);
  port (
    clk     : in  std_logic;
    irq_in  : in  std_logic_vector(N-1 downto 0);
    mask    : in  std_logic_vector(N-1 downto 0) := (others => '1');
    irq_out : out std_logic;
    code    : out std_logic_vector(1 downto 0)
  );
end entity irq_ctrl;

architecture rtl of irq_ctrl is
  signal pending : std_logic_vector(N-1 downto 0);
begin
  pending <= irq_in and mask;

  process(all)
  begin
    case? pending(3 downto 0) is
      when "---1" => code <= "00";
      when "--10" => code <= "01";
      when "-100" => code <= "10";
      when others => code <= "11";
    end case?;
  end process;

  irq_out <= '1' when (pending ?/= (pending'range => '0')) = '1' else '0';
end architecture rtl;
