# Run as a CTest script: cmake -Dprogram=PATH -Dfully_static=ON|OFF -P static_runtime_check.cmake
# Fails when the program would load the C++ runtime (libstdc++, libgcc_s) as a shared library at
# start-up, or, for a fully static program, any shared library at all.
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${program}
    RESOLVED_DEPENDENCIES_VAR loaded UNRESOLVED_DEPENDENCIES_VAR unresolved)
list(APPEND loaded ${unresolved})
if(fully_static AND loaded)
    message(FATAL_ERROR "${program} is meant to be fully static but loads: ${loaded}")
endif()
foreach(library IN LISTS loaded)
    if(library MATCHES "libstdc\\+\\+|libgcc_s")
        message(FATAL_ERROR "${program} loads the C++ runtime at start-up: ${library}")
    endif()
endforeach()
