// Compiled with the include root of one library only: it compiles when that root shows
// the headers of the grid widgets and must not for any layer below. The header itself needs Qt,
// which the probe is not given, so only its presence is asked.
#if !__has_include("grid/GridCtrl.h")
#error "grid/GridCtrl.h: No such file in this include root"
#endif

int main()
{
    return 0;
}
