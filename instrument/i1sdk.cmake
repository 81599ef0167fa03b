# The instrument SDK's ten calls (i1sdk.h) and what answers them: the vendor's
# i1Pro64 library where it is given (always on Windows), our simulated SDK
# everywhere else. Whatever answers is installed with the application: on
# Windows beside the executable, elsewhere in PRIVATE_LIBRARY_DIR; the
# simulated SDK brings its control command i1simctl there (not on Windows), and
# a vendor library is also copied into the build tree's CMAKE_LIBRARY_OUTPUT_DIRECTORY.
# Kept apart from the instrument's own library so the SDK boundary can be
# configured and checked with the MinGW tools alone, without Qt.
if(NOT DEFINED PRIVATE_LIBRARY_DIR)
    message(FATAL_ERROR "Set PRIVATE_LIBRARY_DIR (the install folder of the application's own libraries) "
                        "before including i1sdk.cmake.")
endif()
include(GNUInstallDirs)

if(WIN32)
    set(simulator_default OFF)
else()
    set(simulator_default ON)
endif()
option(I1_USE_SIMULATOR "Answer the instrument SDK calls with the simulated SDK" ${simulator_default})
set(I1_SDK_DIR "" CACHE PATH "Folder that holds the vendor's i1Pro64 library (on Windows its import library and i1Pro64.dll)")

# The ten calls' declarations, "instrument/i1sdk.h" from the repository's
# root: for a caller and for the simulated SDK that answers them.
add_library(i1sdkheader INTERFACE)
target_include_directories(i1sdkheader INTERFACE ${CMAKE_CURRENT_LIST_DIR}/..)
# The calls and what answers them.
add_library(i1sdk INTERFACE)
target_link_libraries(i1sdk INTERFACE i1sdkheader)

# place_instrument_sdk_beside(<target>): after each build the vendor's DLL is
# copied beside the executable, so it runs in place with any generator. The
# simulated SDK is built into the executables' folder already.
function(place_instrument_sdk_beside target)
    if(TARGET I1::SDK AND WIN32)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:I1::SDK> $<TARGET_FILE_DIR:${target}>)
    endif()
endfunction()

if(I1_USE_SIMULATOR)
    add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/simulator ${CMAKE_CURRENT_BINARY_DIR}/simulator)
    target_link_libraries(i1sdk INTERFACE i1sim)
    install(TARGETS i1sim
            RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
            LIBRARY DESTINATION ${PRIVATE_LIBRARY_DIR})
    # i1simctl lies beside the simulated SDK it controls.
    if(TARGET i1simctl)
        install(TARGETS i1simctl RUNTIME DESTINATION ${PRIVATE_LIBRARY_DIR})
    endif()
    return()
endif()

if(NOT I1_SDK_DIR)
    message(FATAL_ERROR "No instrument SDK: set I1_SDK_DIR to the folder that holds the vendor's "
                        "i1Pro64 library (on Windows its import library and i1Pro64.dll), "
                        "or switch I1_USE_SIMULATOR on.")
endif()

# Looked up afresh on every configure, so a changed I1_SDK_DIR takes effect.
# The folder is a path on the building machine, also when cross-compiling.
find_library(I1_SDK_LIBRARY NAMES i1Pro64
             PATHS ${I1_SDK_DIR} PATH_SUFFIXES lib lib/x64 x64
             NO_CACHE NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT I1_SDK_LIBRARY)
    message(FATAL_ERROR "I1_SDK_DIR (${I1_SDK_DIR}) holds no i1Pro64 library.")
endif()

add_library(I1::SDK SHARED IMPORTED GLOBAL)
target_link_libraries(i1sdk INTERFACE I1::SDK)
if(WIN32)
    find_file(I1_SDK_DLL i1Pro64.dll
              PATHS ${I1_SDK_DIR} PATH_SUFFIXES bin bin/x64 x64
              NO_CACHE NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT I1_SDK_DLL)
        message(FATAL_ERROR "I1_SDK_DIR (${I1_SDK_DIR}) holds no i1Pro64.dll.")
    endif()
    set_target_properties(I1::SDK PROPERTIES IMPORTED_IMPLIB ${I1_SDK_LIBRARY} IMPORTED_LOCATION ${I1_SDK_DLL})
    install(IMPORTED_RUNTIME_ARTIFACTS I1::SDK RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
else()
    # Linked by name, so the executable asks for the library's own soname (or
    # its file name), never for the path it was found at.
    set_target_properties(I1::SDK PROPERTIES IMPORTED_LOCATION ${I1_SDK_LIBRARY} IMPORTED_NO_SONAME TRUE)
    # The library with the chain of links that leads to it, e.g.
    # libi1Pro64.so -> libi1Pro64.so.1 -> libi1Pro64.so.1.0.
    if(IS_ABSOLUTE "${PRIVATE_LIBRARY_DIR}")
        set(destination "${PRIVATE_LIBRARY_DIR}")
    else()
        set(destination "\${CMAKE_INSTALL_PREFIX}/${PRIVATE_LIBRARY_DIR}")
    endif()
    install(CODE "file(INSTALL \"${I1_SDK_LIBRARY}\" FOLLOW_SYMLINK_CHAIN DESTINATION \"${destination}\")")
    # The same in the build tree, whose executables find it through the run
    # path they are installed with.
    file(COPY "${I1_SDK_LIBRARY}" FOLLOW_SYMLINK_CHAIN DESTINATION "${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()
