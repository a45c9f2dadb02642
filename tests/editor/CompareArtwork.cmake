# Runs the artwork generator into a fresh folder and checks that it reproduces the committed
# images byte for byte: same files, same bytes.
#
#     cmake -D GENERATOR=... -D OUTPUT=... -D REFERENCE=... -P CompareArtwork.cmake

file (REMOVE_RECURSE "${OUTPUT}")

execute_process (COMMAND "${GENERATOR}" "${OUTPUT}" RESULT_VARIABLE result)
if (NOT result EQUAL 0)
    message (FATAL_ERROR "velora-artwork failed: ${result}")
endif()

file (GLOB expected RELATIVE "${REFERENCE}" "${REFERENCE}/*.png")
file (GLOB produced RELATIVE "${OUTPUT}" "${OUTPUT}/*.png")
list (SORT expected)
list (SORT produced)

if (NOT expected STREQUAL produced)
    message (FATAL_ERROR "generated files differ from resources/\n  committed: ${expected}\n  generated: ${produced}")
endif()

set (different "")
foreach (name IN LISTS expected)
    execute_process (COMMAND "${CMAKE_COMMAND}" -E compare_files "${REFERENCE}/${name}" "${OUTPUT}/${name}"
                     RESULT_VARIABLE same)
    if (NOT same EQUAL 0)
        list (APPEND different "${name}")
    endif()
endforeach()

if (different)
    message (FATAL_ERROR "regenerated images differ from resources/: ${different}\n"
                        "run the regenerate-artwork target and commit the images with the generator change")
endif()

list (LENGTH expected count)
message (STATUS "${count} images reproduced byte for byte")
