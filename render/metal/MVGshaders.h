#pragma once

// The renderer's shader library: one vertex and two fragment functions,
// written in C++ for the CPU Metal layer, and the library blob naming them.

#include <cstddef>

// Registers the three functions with the Metal layer; safe to call often.
void mvg_register_shaders();

const unsigned char* mvg_shader_library_data();
size_t mvg_shader_library_size();

// Test hook: loads this data instead of the built-in library; null restores it.
void mvg_use_shader_library(const unsigned char* data, size_t size);
