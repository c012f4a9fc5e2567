# Screenshot programs: they show desktop windows over a sample model for a few seconds.

# The envelope of the three-span sample with the results and the combinations.
add_executable(kradon_loadcases_showcase ${CMAKE_CURRENT_LIST_DIR}/loadcases_showcase.cpp)
target_link_libraries(kradon_loadcases_showcase PRIVATE kradon_shell)
target_compile_options(kradon_loadcases_showcase PRIVATE ${KRADON_WARNINGS})
target_compile_definitions(kradon_loadcases_showcase PRIVATE
    KRADON_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")

# The results window and the element displacement view of a sample model.
add_executable(kradon_results_showcase ${CMAKE_CURRENT_LIST_DIR}/results_showcase.cpp)
target_link_libraries(kradon_results_showcase PRIVATE kradon_shell)
target_compile_options(kradon_results_showcase PRIVATE ${KRADON_WARNINGS})
target_compile_definitions(kradon_results_showcase PRIVATE
    KRADON_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
