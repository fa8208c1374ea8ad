// Failure injection for the two GL-side creations the drawing code checks: the test program puts
// its own gluNewQuadric and glGenLists in front of the libraries' ones. They pass every call through
// to the real function, except that each can be told to refuse its next request the way the
// library reports a failure (a null quadric, a list name of 0).
#pragma once

void FailNextQuadricCreation();
void FailNextListCreation();
