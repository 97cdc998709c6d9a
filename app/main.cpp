#include <cstdio>

int main()
{
    std::puts("Quorvant: the libraries are built; the editor window is not built yet.");
    return 0;
}
