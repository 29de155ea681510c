#pragma once

namespace lumetra::app {

enum class FormId { Form1, Form2, Form3, Form4 };

} // namespace lumetra::app
