// Placeholder until the windows exist.
