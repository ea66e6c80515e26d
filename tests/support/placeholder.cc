// shared test fixtures arrive here
