# clang and lld in place of g++, on the same mingw-w64 headers and libraries.
# Included after the g++ toolchain file of the same triplet.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${KEL_TRIPLET})
set(CMAKE_CXX_COMPILER_TARGET ${KEL_TRIPLET})
# Without it clang also searches the host's /usr/include.
set(CMAKE_SYSROOT /usr/${KEL_TRIPLET})
set(CMAKE_AR ${KEL_TRIPLET}-ar)
set(CMAKE_RANLIB ${KEL_TRIPLET}-ranlib)

# clang 14 does not recognise Debian's GCC directories (12-posix, 12-win32), so
# the libstdc++ and libgcc of g++'s posix thread model are named here.
execute_process(COMMAND ${KEL_TRIPLET}-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE kel_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(kel_gcc_dir ${kel_libgcc} DIRECTORY)
set(kel_cxx_include ${kel_gcc_dir}/include/c++)
set(CMAKE_CXX_FLAGS_INIT "-stdlib++-isystem ${kel_cxx_include} -stdlib++-isystem ${kel_cxx_include}/${KEL_TRIPLET} -stdlib++-isystem ${kel_cxx_include}/backward")
# -B finds GCC's crtbegin.o and crtend.o; -pthread links the winpthreads that
# libstdc++ and libgcc's emutls call.
set(kel_link_flags "-fuse-ld=lld -B${kel_gcc_dir} -L${kel_gcc_dir} -pthread")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${kel_link_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${kel_link_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${kel_link_flags}")

# Exceptions thrown through libstdc++'s template code (std::wstring's
# allocations among it) end in std::terminate in this build, and no flag mends
# it. clang already uses the exception model of Debian's libgcc and libstdc++
# (DWARF-2 on i686, SEH on x86_64) and links the same static libgcc and
# libgcc_eh as g++. But in Debian's static libstdc++ the unwind sections of
# COMDAT functions (.eh_frame$<function> on i686, .pdata$<function> on x86_64)
# carry no section symbol: GNU ld keeps them by name, lld keeps a COMDAT section
# only through its symbol and drops them, so those frames have no unwind data.
# GNU ld instead warns at link time ("duplicate section ... has different
# size"), and with libstdc++'s DLL a program's own operator new no longer
# serves the string code. So tests that throw through libstdc++ skip here.
