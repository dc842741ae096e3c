-- N-to-1 stream multiplexer; VHDL-2008 arrays of unconstrained vectors.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use work.words_pkg.all;

entity stream_mux is
  generic (
    N_INPUTS : positive := 4;
    W        : positive := 8
  );
  port (
    sel    : in  natural range 0 to N_INPUTS-1;
    data_i : in  t_word_array(0 to N_INPUTS-1)(W-1 downto 0);
    valid  : in  std_ulogic_vector;                 -- one bit per input, unconstrained
    data_o : out std_ulogic_vector(W-1 downto 0);
    last_o : out std_ulogic
  );
end entity stream_mux;

architecture rtl of stream_mux is
begin
  data_o <= data_i(sel);
  last_o <= valid(valid'low + sel);
end architecture rtl;
