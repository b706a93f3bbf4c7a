// filled in by the keyer's window handlers
