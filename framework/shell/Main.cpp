#include <cstdio>

int main() {
    std::printf("OmnarControl %s: the editor window and its shell are not built yet\n",
                OMNAR_VERSION);
    return 0;
}
