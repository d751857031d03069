// Written in the next commits.
