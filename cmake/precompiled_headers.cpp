// The one source of the object libraries that only precompile headers for others.
