#include <cstdio>

int main()
{
    std::fputs("qvkernel: the kernel is not built yet.\n", stderr);
    return 1;
}
