// A stand-in executable that carries the version record, so that the tests
// can read the record out of a built executable.
int main() { return 0; }
