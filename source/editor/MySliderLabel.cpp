#include "MySliderLabel.h"

MySliderLabel::~MySliderLabel() = default;
