// An empty library that the tests load from folders of chosen depth, to give
// g_hInstance a module path of a chosen length.
extern "C" __declspec(dllexport) int ProbeDll()
{
    return 1;
}
