// A library of the right name without the entry points the zip component binds.
extern "C" int somethingElse()
{
    return 0;
}
