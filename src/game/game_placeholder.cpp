// The game library gains its sources with the round and the shell.
