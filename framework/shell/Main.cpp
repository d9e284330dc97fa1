#include <cstdio>

int main() {
    std::printf("OmnarControl %s: the editor window, MIDI and audio are not built yet\n",
                OMNAR_VERSION);
    return 0;
}
