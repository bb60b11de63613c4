# Building for 32-bit x86 Linux on a 64-bit one (g++-multilib), so the
# plug-ins' tests run where pointers, size_t and long are 32 bits wide, as
# in the deliverable.
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
foreach(kind C CXX EXE_LINKER SHARED_LINKER MODULE_LINKER)
  set(CMAKE_${kind}_FLAGS_INIT -m32)
endforeach()
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
