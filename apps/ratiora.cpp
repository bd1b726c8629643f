#include "lessons_b/sections.h"

int main(int argc, char** argv) { return lesson::runProgram(ratiora::program(), argc, argv); }
