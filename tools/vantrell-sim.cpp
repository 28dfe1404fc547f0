// The headless driver: reads the operator's events as text commands and
// prints the program's state as JSON. Being written.
#include <cstdio>
int main()
{
    std::fputs("vantrell-sim: not built yet\n", stderr);
    return 2;
}
