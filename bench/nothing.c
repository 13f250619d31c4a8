/* The floor of a run: a static program that starts, reads nothing and exits. */
int main(void) { return 0; }
