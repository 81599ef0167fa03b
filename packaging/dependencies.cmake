# Run by cpack once the package's files are staged: the package's Depends,
# from the shared libraries its programs and libraries link, found by
# dpkg-shlibdeps as CPack's own scan runs it. That scan stays off: for any
# library below /usr/lib, the private one in /usr/lib/vantrelnut too, it also
# has ldconfig run whenever the package is installed or removed.
set(tree "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${tree}" "${tree}/usr/*")
set(elf_files "")
foreach(file IN LISTS files)
    if(NOT IS_SYMLINK "${tree}/${file}")
        file(READ "${tree}/${file}" magic LIMIT 4 HEX)
        if(magic STREQUAL "7f454c46")
            list(APPEND elf_files "${file}")
        endif()
    endif()
endforeach()

# dpkg-shlibdeps runs in a source tree (debian/control) and resolves $ORIGIN
# in run paths against the package's root, which DEBIAN/ marks.
file(WRITE "${tree}/debian/control" "")
file(MAKE_DIRECTORY "${tree}/DEBIAN")
execute_process(COMMAND dpkg-shlibdeps --ignore-missing-info -O ${elf_files}
                WORKING_DIRECTORY "${tree}"
                OUTPUT_VARIABLE depends ERROR_VARIABLE errors RESULT_VARIABLE result
                OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${tree}/debian" "${tree}/DEBIAN")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-shlibdeps ${elf_files} failed:\n${errors}")
endif()
string(REGEX REPLACE "^shlibs:Depends=" "" CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
